# Dernolo's pictures, drawn from the SVG sources beside this file at build time (see
# cmake/SvgPictures.cmake): each icon file holds one picture at its resource size, and one
# 24-bit bitmap. Fills DERNOLO_ART_FILES with every file made and DERNOLO_ART_DIR with their folder.
include(${PROJECT_SOURCE_DIR}/cmake/SvgPictures.cmake)

set(DERNOLO_ART_DIR ${CMAKE_CURRENT_BINARY_DIR}/art)
set(DERNOLO_ART_FILES)
set(dernolo_art_source ${CMAKE_CURRENT_SOURCE_DIR}/art)

# dernolo_icon(name width height): art/name.svg as name.ico holding one picture of that size.
function(dernolo_icon name width height)
  dir_svg_picture(${DERNOLO_ART_DIR}/${name}.ico SVG ${dernolo_art_source}/${name}.svg SIZES ${width}x${height}
    COMMENT "Drawing the icon ${name}.ico" APPEND_TO DERNOLO_ART_FILES)
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

dir_svg_picture(${DERNOLO_ART_DIR}/favourite_slot.bmp SVG ${dernolo_art_source}/favourite_slot.svg SIZES 119x35
  MATTE "#2a6aa6" COMMENT "Drawing the bitmap favourite_slot.bmp" APPEND_TO DERNOLO_ART_FILES)

# The business card's buttons, each with its pressed picture.
dernolo_icon(card_address 59 37)
foreach(icon card_dial card_dial_pressed card_web card_web_pressed card_email card_email_pressed)
  dernolo_icon(${icon} 59 20)
endforeach()
