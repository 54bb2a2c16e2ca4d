vra_fuzz_target(chart_model SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/chart_model.cpp LIBS core_chart)
# Regenerates fuzz/corpus/chart_model: chart_model_seeds <folder>
add_executable(chart_model_seeds ${CMAKE_CURRENT_SOURCE_DIR}/chart_model_seeds.cpp)
