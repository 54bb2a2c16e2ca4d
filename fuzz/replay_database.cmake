vra_fuzz_target(replay_database SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/replay_database.cpp LIBS core_laps)
# Regenerates fuzz/corpus/replay_database: rdb_seeds <folder>
add_executable(rdb_seeds ${CMAKE_CURRENT_SOURCE_DIR}/rdb_seeds.cpp)
target_link_libraries(rdb_seeds PRIVATE core_laps simkit)
