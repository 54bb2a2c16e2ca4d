vra_bench(addlap_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/addlap_bench.cpp LIBS core_document testkit)
