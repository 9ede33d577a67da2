# Rasterize's pixel operations: plain code on buffers, shared by the plug-in,
# the tests and the benchmarks.
add_library(FenkPixelOps STATIC ${CMAKE_CURRENT_LIST_DIR}/pixel_ops.cpp)
target_include_directories(FenkPixelOps PUBLIC ${CMAKE_CURRENT_LIST_DIR})
set_target_properties(FenkPixelOps PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
