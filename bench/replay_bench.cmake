vra_bench(replay_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/replay_bench.cpp LIBS core_replay simkit)
