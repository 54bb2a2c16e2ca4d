vra_bench(stint_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/stint_bench.cpp LIBS core_graphs simkit)
