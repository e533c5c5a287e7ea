target_sources(quorvandel_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
)
