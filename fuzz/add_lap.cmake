vra_fuzz_target(add_lap SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/add_lap.cpp ${CMAKE_CURRENT_SOURCE_DIR}/AddLapFolder.cpp
                LIBS core_document testkit simkit)
# Regenerates fuzz/corpus/add_lap: add_lap_seeds <folder>; the large seed: add_lap_seeds --large <folder>
add_executable(add_lap_seeds ${CMAKE_CURRENT_SOURCE_DIR}/add_lap_seeds.cpp ${CMAKE_CURRENT_SOURCE_DIR}/AddLapFolder.cpp)
target_link_libraries(add_lap_seeds PRIVATE simkit core_base)
