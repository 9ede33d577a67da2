# The effects beyond the basic ones (backgrounds with a window or a tint, Wave,
# Rasterize, CircularBlur with the render target, MovieJitter, credits, star
# field), added to Fenk; and Rasterize's pixel operations, plain code on buffers
# shared by the plug-in, the tests and the benchmarks.
add_library(FenkPixelOps STATIC ${CMAKE_CURRENT_LIST_DIR}/pixel_ops.cpp ${CMAKE_CURRENT_LIST_DIR}/box_blur.cpp)
target_include_directories(FenkPixelOps PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# The blur's and the shape's plain loops are written for the vectoriser, which
# -O3 runs in full.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/box_blur.cpp ${CMAKE_CURRENT_LIST_DIR}/pixel_ops.cpp
                            PROPERTIES COMPILE_OPTIONS "-O3")
set_target_properties(FenkPixelOps PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

if(TARGET Fenk AND TARGET FenkEffects)
  add_library(FenkEffectsMore OBJECT
    ${CMAKE_SOURCE_DIR}/fxruntime/render_target.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wave.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rasterize.cpp
    ${CMAKE_CURRENT_LIST_DIR}/circular_blur.cpp
    ${CMAKE_CURRENT_LIST_DIR}/movie_jitter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/credits.cpp
    ${CMAKE_CURRENT_LIST_DIR}/star_field.cpp)
  target_link_libraries(FenkEffectsMore PUBLIC FenkEffects FenkPixelOps)
  set_target_properties(FenkEffectsMore PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(Fenk PRIVATE FenkEffectsMore FenkPixelOps)
endif()
