# The editor's operations on the demo; EditorApp derives from DemoOperations.
add_library(TrellicEditing STATIC ${CMAKE_CURRENT_LIST_DIR}/demo_operations.cpp ${CMAKE_CURRENT_LIST_DIR}/undo_history.cpp ${CMAKE_CURRENT_LIST_DIR}/music_edits.cpp)
target_include_directories(TrellicEditing PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(TrellicEditing PUBLIC TrellicCore)
