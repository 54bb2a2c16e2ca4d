vra_fuzz_target(core_ini SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/core_ini.cpp LIBS core_settings)
