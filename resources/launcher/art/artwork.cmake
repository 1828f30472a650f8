# The launcher's pictures are drawn from the SVG sources beside this file at build time (see
# cmake/SvgPictures.cmake) as the 24-bit BMP and icon files that the resource script names.
# Fills LAUNCHER_ART_FILES with every file made.
include(${PROJECT_SOURCE_DIR}/cmake/SvgPictures.cmake)

set(LAUNCHER_ART_DIR ${CMAKE_CURRENT_BINARY_DIR}/art)
set(LAUNCHER_ART_FILES)
set(launcher_art_source ${CMAKE_CURRENT_SOURCE_DIR}/art)

dir_svg_picture(${LAUNCHER_ART_DIR}/background.bmp SVG ${launcher_art_source}/background.svg MATTE "#ffffff"
  COMMENT "Drawing the launcher picture background.bmp" APPEND_TO LAUNCHER_ART_FILES)

# The panel behind the buttons is a vertical gradient; each picture's corners are matted
# with the panel's colour at the button's height so that they blend in.
set(launcher_button_looks_normal   "#ffffff;#eef4fc;#d3e2f5;#3d74bd;#16498f;0.55")
set(launcher_button_looks_selected "#4d95e6;#2468c4;#174c98;#0d3470;#ffffff;0.30")
set(launcher_button_looks_next     "#ffd44f;#f6b300;#e09600;#a86a00;#3a2600;0.50")
set(launcher_button_looks_nextlit  "#ffe58a;#ffc933;#f2a900;#a86a00;#1e1400;0.60")

# launcher_button(name width height look matte label): one button picture.
function(launcher_button name width height look matte label)
  list(GET launcher_button_looks_${look} 0 FACE_TOP)
  list(GET launcher_button_looks_${look} 1 FACE_MIDDLE)
  list(GET launcher_button_looks_${look} 2 FACE_BOTTOM)
  list(GET launcher_button_looks_${look} 3 EDGE)
  list(GET launcher_button_looks_${look} 4 INK)
  list(GET launcher_button_looks_${look} 5 SHINE)
  set(BUTTON_WIDTH ${width})
  set(BUTTON_HEIGHT ${height})
  set(MATTE ${matte})
  set(LABEL ${label})
  math(EXPR FRAME_WIDTH "${width} - 2")
  math(EXPR FRAME_HEIGHT "${height} - 2")
  math(EXPR SHINE_WIDTH "${width} - 6")
  math(EXPR SHINE_HEIGHT "${height} * 2 / 5")
  math(EXPR LABEL_X "${width} / 2")
  if(height GREATER 36)
    set(LABEL_SIZE 15)
  else()
    set(LABEL_SIZE 13)
  endif()
  math(EXPR LABEL_Y "(${height} + ${LABEL_SIZE}) / 2 - 1")
  set(svg ${LAUNCHER_ART_DIR}/${name}.svg)
  configure_file(${launcher_art_source}/button.svg.in ${svg} @ONLY)
  dir_svg_picture(${LAUNCHER_ART_DIR}/${name}.bmp SVG ${svg} MATTE ${matte}
    DEPENDS ${launcher_art_source}/button.svg.in
    COMMENT "Drawing the launcher picture ${name}.bmp" APPEND_TO LAUNCHER_ART_FILES)
  set(LAUNCHER_ART_FILES ${LAUNCHER_ART_FILES} PARENT_SCOPE)
endfunction()

launcher_button(spb        158 35 normal   "#f8fafd" "Санкт-Петербург")
launcher_button(spb_lit    158 35 selected "#f8fafd" "Санкт-Петербург")
launcher_button(msk        158 35 normal   "#f8fafd" "Москва")
launcher_button(msk_lit    158 35 selected "#f8fafd" "Москва")
launcher_button(both       187 35 normal   "#edf2f9" "Обе: СПб и Москва")
launcher_button(both_lit   187 35 selected "#edf2f9" "Обе: СПб и Москва")
launcher_button(next       118 40 next     "#eaf0f8" "Далее  ›")
launcher_button(next_lit   118 40 nextlit  "#eaf0f8" "Далее  ›")

# The window icons: 107 holds the large picture (and smaller ones for the task switcher),
# 108 the small one of the caption.
dir_svg_picture(${LAUNCHER_ART_DIR}/vantory.ico SVG ${launcher_art_source}/icon.svg SIZES 48x48 32x32 16x16
  SIZED_NAMES COMMENT "Drawing the launcher icon vantory.ico" APPEND_TO LAUNCHER_ART_FILES)
dir_svg_picture(${LAUNCHER_ART_DIR}/small.ico SVG ${launcher_art_source}/icon.svg SIZES 16x16
  SIZED_NAMES COMMENT "Drawing the launcher icon small.ico" APPEND_TO LAUNCHER_ART_FILES)
