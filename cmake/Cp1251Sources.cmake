# dir_cp1251_sources(TARGET SOURCE...): adds the sources to TARGET with their narrow literals in
# code page 1251, as the desktop's ANSI programs need. gcc converts them itself (-fexec-charset);
# clang knows no execution character set but UTF-8, so it compiles copies converted beforehand,
# whose literals it takes byte for byte.
function(dir_cp1251_sources target)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_sources(${target} PRIVATE ${ARGN})
    target_compile_options(${target} PRIVATE -fexec-charset=CP1251)
    # A precompiled header made for UTF-8 literals does not serve them.
    set_target_properties(${target} PROPERTIES DISABLE_PRECOMPILE_HEADERS ON)
    return()
  endif()
  find_program(DIR_ICONV iconv REQUIRED)
  foreach(source IN LISTS ARGN)
    get_filename_component(original ${source} ABSOLUTE)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${original})
    set(converted ${PROJECT_BINARY_DIR}/cp1251/${relative})
    get_filename_component(folder ${converted} DIRECTORY)
    add_custom_command(OUTPUT ${converted}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${DIR_ICONV} -f UTF-8 -t CP1251 -o ${converted} ${original}
      DEPENDS ${original}
      COMMENT "Converting ${relative} to code page 1251"
      VERBATIM)
    set_source_files_properties(${converted} PROPERTIES COMPILE_OPTIONS -Wno-invalid-source-encoding)
    target_sources(${target} PRIVATE ${converted})
  endforeach()
endfunction()
