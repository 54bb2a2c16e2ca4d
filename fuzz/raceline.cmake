vra_fuzz_target(raceline SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/raceline.cpp LIBS core_ptf core_track core_decode simkit)
# Regenerates fuzz/corpus/raceline: raceline_seeds <folder>
add_executable(raceline_seeds ${CMAKE_CURRENT_SOURCE_DIR}/raceline_seeds.cpp)
target_link_libraries(raceline_seeds PRIVATE simkit)
