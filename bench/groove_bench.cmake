vra_bench(groove_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/groove_bench.cpp LIBS core_export)
