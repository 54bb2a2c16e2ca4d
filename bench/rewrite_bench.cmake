vra_bench(rewrite_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/rewrite_bench.cpp LIBS core_replay simkit)
