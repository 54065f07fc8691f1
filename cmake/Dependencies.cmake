# Third-party headers from Debian's packages, exposed through a folder of links that holds
# only these libraries (never all of /usr/include, which belongs to the host).
set(TANDREL_DEPS_INCLUDE ${CMAKE_BINARY_DIR}/deps-include)
file(MAKE_DIRECTORY ${TANDREL_DEPS_INCLUDE})
foreach(dir spdlog fmt rapidjson)
  if(NOT EXISTS /usr/include/${dir})
    message(FATAL_ERROR "/usr/include/${dir} is missing: run tools/bootstrap.sh")
  endif()
  file(CREATE_LINK /usr/include/${dir} ${TANDREL_DEPS_INCLUDE}/${dir} SYMBOLIC)
endforeach()
file(CREATE_LINK /usr/include/stb/stb_image.h ${TANDREL_DEPS_INCLUDE}/stb_image.h SYMBOLIC)

add_library(tandrel_deps INTERFACE)
target_include_directories(tandrel_deps SYSTEM INTERFACE ${TANDREL_DEPS_INCLUDE})
# fmt's locale-aware formatting would pull every std::locale facet (about 600 KB) into the
# executable; the log never formats with a locale.
target_compile_definitions(tandrel_deps INTERFACE FMT_HEADER_ONLY FMT_STATIC_THOUSANDS_SEPARATOR=0x2C)
