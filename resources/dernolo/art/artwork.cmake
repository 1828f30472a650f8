# Dernolo's pictures, drawn from the SVG sources beside this file at build time: rsvg-convert
# renders each at its resource size, ImageMagick makes the icon files and the 24-bit bitmap.
# Fills DERNOLO_ART_FILES with every file made and DERNOLO_ART_DIR with their folder.
find_program(DERNOLO_RSVG rsvg-convert REQUIRED)
# Only ImageMagick's own convert will do (a stand-in of the same name may sit earlier on PATH).
find_program(DERNOLO_CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

set(DERNOLO_ART_DIR ${CMAKE_CURRENT_BINARY_DIR}/art)
set(DERNOLO_ART_FILES)
set(dernolo_art_source ${CMAKE_CURRENT_SOURCE_DIR}/art)

# dernolo_icon(name width height): art/name.svg as name.ico holding one picture of that size.
function(dernolo_icon name width height)
  set(png ${DERNOLO_ART_DIR}/${name}.png)
  set(ico ${DERNOLO_ART_DIR}/${name}.ico)
  add_custom_command(OUTPUT ${ico}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DERNOLO_ART_DIR}
    COMMAND ${DERNOLO_RSVG} -w ${width} -h ${height} ${dernolo_art_source}/${name}.svg -o ${png}
    COMMAND ${DERNOLO_CONVERT} ${png} ${ico}
    DEPENDS ${dernolo_art_source}/${name}.svg
    COMMENT "Drawing the icon ${name}.ico"
    VERBATIM)
  list(APPEND DERNOLO_ART_FILES ${ico})
  set(DERNOLO_ART_FILES ${DERNOLO_ART_FILES} PARENT_SCOPE)
endfunction()

foreach(icon themes rubrics favourites search metro bridges rescue police ambulance gas enquiries exact_time
             exact_time_m fines partner_m program)
  dernolo_icon(${icon} 32 32)
endforeach()
dernolo_icon(catalogue 32 26)
dernolo_icon(telephones 32 26)
dernolo_icon(add 24 24)
dernolo_icon(edit 24 24)
dernolo_icon(clear 24 24)
dernolo_icon(partner 52 51)
dernolo_icon(banner 168 14)
dernolo_icon(bar_maker 108 20)
foreach(icon bar_home bar_back bar_forward bar_keyboard bar_change_m bar_change)
  dernolo_icon(${icon} 22 20)
endforeach()
dernolo_icon(bar_help 22 18)
dernolo_icon(bar_exit 26 20)

set(slot_png ${DERNOLO_ART_DIR}/favourite_slot.png)
set(slot_bmp ${DERNOLO_ART_DIR}/favourite_slot.bmp)
add_custom_command(OUTPUT ${slot_bmp}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DERNOLO_ART_DIR}
  COMMAND ${DERNOLO_RSVG} -w 119 -h 35 ${dernolo_art_source}/favourite_slot.svg -o ${slot_png}
  COMMAND ${DERNOLO_CONVERT} ${slot_png} -background "#2a6aa6" -flatten -alpha off -type truecolor BMP3:${slot_bmp}
  DEPENDS ${dernolo_art_source}/favourite_slot.svg
  COMMENT "Drawing the bitmap favourite_slot.bmp"
  VERBATIM)
list(APPEND DERNOLO_ART_FILES ${slot_bmp})
