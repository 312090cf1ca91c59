# QuickJS-ng, built from the sources of Debian's qjs-src package (scripts/setup.sh unpacks them).
if(NOT EXISTS "${BW_QUICKJS_DIR}/quickjs.c")
  message(FATAL_ERROR "QuickJS-ng sources not found in ${BW_QUICKJS_DIR}: run scripts/setup.sh")
endif()
add_library(quickjs STATIC
  ${BW_QUICKJS_DIR}/quickjs.c
  ${BW_QUICKJS_DIR}/libregexp.c
  ${BW_QUICKJS_DIR}/libunicode.c
  ${BW_QUICKJS_DIR}/dtoa.c)
target_include_directories(quickjs SYSTEM PUBLIC ${BW_QUICKJS_DIR})
target_compile_definitions(quickjs PRIVATE _GNU_SOURCE)
target_compile_options(quickjs PRIVATE -w -fvisibility=hidden)
target_link_libraries(quickjs PUBLIC m Threads::Threads)
