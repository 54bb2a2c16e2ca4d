vra_fuzz_target(rtf_runs SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/rtf_runs.cpp LIBS core_reports)
