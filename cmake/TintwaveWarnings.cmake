# Project-wide compiler settings, applied per target so third-party code is not affected.
function(tintwave_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  # Qt's lower-case keyword macros ("slots", "signals", "emit") would clash with our own
  # names (Palette::slots); use Q_SLOTS, Q_SIGNALS and Q_EMIT instead.
  target_compile_definitions(${target} PUBLIC QT_NO_KEYWORDS QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# A static library of one layer of the program.
function(tintwave_add_library target)
  add_library(${target} STATIC ${ARGN})
  tintwave_target_defaults(${target})
endfunction()
