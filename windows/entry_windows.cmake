# The main window and the two entry dialogs, with the pieces they share.
target_sources(quorvandel_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/add_course_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/add_section_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/logo.cpp
  # The Options dialog: busy times and the order of the results.
  ${CMAKE_CURRENT_LIST_DIR}/options_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/busy_times_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_window.h
)
# Keeping the schedule in a file: "Save", "Load" and unsaved changes.
target_sources(quorvandel_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/file_chooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_chooser.h
  ${CMAKE_CURRENT_LIST_DIR}/schedule_keeper.cpp
  ${CMAKE_CURRENT_LIST_DIR}/schedule_keeper.h
)
# The help window names the program's version.
target_compile_definitions(quorvandel_windows PRIVATE QUORVANDEL_VERSION_TEXT="${PROJECT_VERSION}")
