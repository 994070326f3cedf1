# The evaluation engines (eval/) as static libraries, and the debug log file
# (diag/) the traced build writes to. DEBUG_LOG is decided at compile time.
#
# Two engines reach every answer each on its own:
#   lumocalc_fast   the one-pass engine of the delivered build, without any trace;
#   lumocalc_steps  the step-by-step engine (eval/steps/), whose every step is a
#                   whole-line rewrite; with the log on, its trace is the record
#                   of those rewrites, so it is the engine of every traced build.
# Both stand on lumocalc_basics: number texts, arithmetic, radix texts, text
# operations and the display of a result, all in the Extended type of
# lumocalc_extended (cmake/Extended.cmake).
set(src ${PROJECT_SOURCE_DIR}/eval)
add_library(lumocalc_basics STATIC
  ${src}/arithmetic.cpp ${src}/decimal_digits.cpp ${src}/decimal_to_extended.cpp
  ${src}/display.cpp ${src}/format_grouped.cpp ${src}/format_number.cpp
  ${src}/parse_number.cpp ${src}/radix_number.cpp ${src}/text.cpp)
target_include_directories(lumocalc_basics PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lumocalc_basics PUBLIC lumocalc_extended)

add_library(lumocalc_fast STATIC ${src}/eval.cpp ${src}/oper.cpp ${src}/solv.cpp)
target_link_libraries(lumocalc_fast PUBLIC lumocalc_basics)

if(WIN32)
  add_library(lumocalc_log STATIC ${PROJECT_SOURCE_DIR}/diag/debug_log_win32.cpp)
else()
  add_library(lumocalc_log STATIC ${PROJECT_SOURCE_DIR}/diag/debug_log_posix.cpp)
endif()
target_include_directories(lumocalc_log PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(lumocalc_log PUBLIC DEBUG_LOG=1)

# The step engine without its trace (to compare answers with), and with it.
set(steps_sources ${src}/steps/eval.cpp ${src}/steps/oper.cpp ${src}/steps/solv.cpp)
add_library(lumocalc_steps STATIC ${steps_sources})
target_link_libraries(lumocalc_steps PUBLIC lumocalc_basics)
target_compile_definitions(lumocalc_steps PRIVATE DEBUG_LOG=0)
add_library(lumocalc_steps_traced STATIC ${steps_sources})
target_link_libraries(lumocalc_steps_traced PUBLIC lumocalc_basics lumocalc_log)

# lumocalc_add_engine(name ON|OFF): Calculate with the engine of that setting.
function(lumocalc_add_engine name debug_log)
  add_library(${name} STATIC ${src}/calculate.cpp)
  if(debug_log)
    target_link_libraries(${name} PUBLIC lumocalc_steps_traced)
    target_compile_definitions(${name} PUBLIC DEBUG_LOG=1)
  else()
    target_link_libraries(${name} PUBLIC lumocalc_fast)
    target_compile_definitions(${name} PUBLIC DEBUG_LOG=0)
  endif()
endfunction()
