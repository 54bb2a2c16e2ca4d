vra_fuzz_target(stint_loader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/stint_loader.cpp LIBS core_graphs)
