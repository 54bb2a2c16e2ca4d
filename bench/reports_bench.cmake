vra_bench(reports_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/reports_bench.cpp LIBS core_reports simkit)
