# The same sources give the same bytes wherever and whenever they are built
# (scripts/release-twice.sh checks it): no path of the machine gets into a
# program through __FILE__ or debug information, and the Windows linker
# writes no build time into the PE header. Times the packaging writes come
# from SOURCE_DATE_EPOCH (scripts/release.sh sets it to the last commit's).
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
endif()
if(WIN32)
  add_link_options(LINKER:--no-insert-timestamp)
endif()
