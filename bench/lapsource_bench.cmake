vra_bench(lapsource_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/lapsource_bench.cpp LIBS core_laps simkit testkit)
