# Pictures drawn from SVG sources at build time for the resource scripts: rsvg-convert renders
# each picture as a PNG, ImageMagick gathers the PNGs into an icon file or flattens one into the
# 24-bit BMP that a BITMAP statement names.
find_program(DIR_RSVG rsvg-convert REQUIRED)
# Only ImageMagick's own convert will do (a stand-in of the same name may sit earlier on PATH).
find_program(DIR_CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

# dir_svg_picture(<output>.ico|.bmp SVG <source> [SIZES <width>x<height>...] [MATTE <colour>]
#                 [SIZED_NAMES] [DEPENDS <file>...] COMMENT <text> APPEND_TO <list variable>)
# An icon holds one picture of each size; a bitmap is one picture (at its size, or the source's
# own without SIZES) flattened on the MATTE colour. The PNGs lie beside the output under its
# name, or with SIZED_NAMES under its name and each width (name_48.png). The output is appended
# to the caller's list.
function(dir_svg_picture output)
  cmake_parse_arguments(P "SIZED_NAMES" "SVG;MATTE;COMMENT;APPEND_TO" "SIZES;DEPENDS" ${ARGN})
  get_filename_component(folder ${output} DIRECTORY)
  get_filename_component(stem ${output} NAME_WE)
  get_filename_component(kind ${output} LAST_EXT)
  set(sizes ${P_SIZES})
  if(NOT sizes)
    set(sizes own)
  endif()
  list(LENGTH sizes pictures)
  if(kind STREQUAL ".bmp" AND pictures GREATER 1)
    message(FATAL_ERROR "${output}: a bitmap holds one picture")
  endif()

  set(commands COMMAND ${CMAKE_COMMAND} -E make_directory ${folder})
  set(pngs)
  foreach(size IN LISTS sizes)
    set(dimensions)
    set(png ${folder}/${stem}.png)
    if(NOT size STREQUAL "own")
      string(REPLACE "x" ";" width_height ${size})
      list(GET width_height 0 width)
      list(GET width_height 1 height)
      set(dimensions -w ${width} -h ${height})
      if(P_SIZED_NAMES)
        set(png ${folder}/${stem}_${width}.png)
      endif()
    endif()
    list(APPEND commands COMMAND ${DIR_RSVG} ${dimensions} ${P_SVG} -o ${png})
    list(APPEND pngs ${png})
  endforeach()
  if(kind STREQUAL ".bmp")
    list(APPEND commands
      COMMAND ${DIR_CONVERT} ${pngs} -background ${P_MATTE} -flatten -alpha off -type truecolor BMP3:${output})
  else()
    list(APPEND commands COMMAND ${DIR_CONVERT} ${pngs} ${output})
  endif()
  add_custom_command(OUTPUT ${output} ${commands}
    DEPENDS ${P_SVG} ${P_DEPENDS}
    COMMENT "${P_COMMENT}"
    VERBATIM)
  set(${P_APPEND_TO} ${${P_APPEND_TO}} ${output} PARENT_SCOPE)
endfunction()
