# What every target of the project shares, attached per target rather than
# to the whole directory tree, so third-party code added later is untouched.

# Warnings on for every target; third-party headers are system includes, so
# their warnings do not reach us. Warnings stop the build only where
# CMAKE_COMPILE_WARNING_AS_ERROR is set: the developers' and CI's presets
# (CMakePresets.json), never a packager's build.
add_library(quorvandel_warnings INTERFACE)
target_compile_options(quorvandel_warnings INTERFACE -Wall -Wextra -Wpedantic)
# GCC 12 at -O2 and above reports -Wrestrict inside libstdc++'s own
# `"text" + std::string` (GCC bug 105329, fixed in GCC 13): a false alarm
# that no change of ours can avoid everywhere.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(quorvandel_warnings INTERFACE -Wno-restrict)
endif()

# The version text, generated once into a header of its own.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/quorvandel_version.h @ONLY)
add_library(quorvandel_version INTERFACE)
target_include_directories(quorvandel_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

# quorvandel_plain_library(NAME src...): a library in plain C++, no Qt.
function(quorvandel_plain_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE quorvandel_warnings)
endfunction()

# quorvandel_qt_library(NAME src...): a library that uses Qt, so moc runs on it.
function(quorvandel_qt_library name)
  quorvandel_plain_library(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
endfunction()
