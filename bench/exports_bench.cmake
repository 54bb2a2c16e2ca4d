vra_bench(exports_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/exports_bench.cpp LIBS core_export simkit)
