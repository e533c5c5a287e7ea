# The results viewer: the results frame, the timetable grid view and the
# presenter the main window hands found timetables to, printing and export
# of the shown timetable, with the form sizes, the controls, the message box,
# where windows open and the one-command-at-a-time rule every window shares.
# Built as its own library so its tests need none of the other windows, nor
# the generator.
add_library(quorvandel_results STATIC
  ${CMAKE_CURRENT_LIST_DIR}/results_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results_frame.h
  ${CMAKE_CURRENT_LIST_DIR}/timetable_grid_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timetable_grid_view.h
  ${CMAKE_CURRENT_LIST_DIR}/command_turn.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_turn.h
  ${CMAKE_CURRENT_LIST_DIR}/form_controls.h
  ${CMAKE_CURRENT_LIST_DIR}/form_metrics.h
  ${CMAKE_CURRENT_LIST_DIR}/results_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results_windows.h
  ${CMAKE_CURRENT_LIST_DIR}/results_presenter.h
  ${CMAKE_CURRENT_LIST_DIR}/results_dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results_dialogs.h
  ${CMAKE_CURRENT_LIST_DIR}/term_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/term_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/timetable_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timetable_page.h
  ${CMAKE_CURRENT_LIST_DIR}/timetable_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timetable_export.h
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.h
  ${CMAKE_CURRENT_LIST_DIR}/window_placement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_placement.h
)
target_include_directories(quorvandel_results PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quorvandel_results PUBLIC quorvandel_schedule quorvandel_cell_style quorvandel_calendar
  Qt6::Widgets Qt6::PrintSupport)
target_link_libraries(quorvandel_windows PUBLIC quorvandel_results)
