# How a timetable grid cell looks: the course colours and the fitted
# caption. Plain functions over Qt Gui, so their tests need no window.
add_library(quorvandel_cell_style STATIC
  ${CMAKE_CURRENT_LIST_DIR}/cell_caption.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cell_caption.h
  ${CMAKE_CURRENT_LIST_DIR}/course_palette.cpp
  ${CMAKE_CURRENT_LIST_DIR}/course_palette.h
)
target_include_directories(quorvandel_cell_style PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quorvandel_cell_style PUBLIC quorvandel_schedule Qt6::Gui)
