# The dialog as a local web page (veltrix --ui).
#
# As a script (cmake -P), it turns the files of the assets folder into a
# C++ source of byte arrays: -DASSETS_DIR=... -DOUTPUT=...
if(CMAKE_SCRIPT_MODE_FILE)
  file(GLOB assets RELATIVE "${ASSETS_DIR}" "${ASSETS_DIR}/*")
  list(SORT assets)
  set(arrays "")
  set(rows "")
  set(index 0)
  foreach(name IN LISTS assets)
    file(READ "${ASSETS_DIR}/${name}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
    string(APPEND arrays "const unsigned char kAsset${index}[] = {\n${bytes}0};\n")
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(APPEND rows "    {\"${name}\", kAsset${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  file(WRITE "${OUTPUT}.new"
    "// Made by cmake/WebPage.cmake from src/frontend/web/assets; do not edit.\n"
    "#include \"frontend/web/Assets.h\"\n\nnamespace veltrix {\n\nnamespace {\n\n${arrays}\n"
    "const EmbeddedAsset kAssets[] = {\n${rows}};\n\n}  // namespace\n\n"
    "std::span<const EmbeddedAsset> EmbeddedAssets() { return kAssets; }\n\n}  // namespace veltrix\n")
  file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${OUTPUT}.new")
  return()
endif()

# The parts of the page that need no HTTP server (the dialog's table, the
# listing pages, the file chooser, the assets): always built, and tested.
set(VELTRIX_WEB_DIR ${CMAKE_CURRENT_SOURCE_DIR}/src/frontend/web)
file(GLOB VELTRIX_WEB_ASSETS CONFIGURE_DEPENDS ${VELTRIX_WEB_DIR}/assets/*)
set(VELTRIX_WEB_ASSETS_CPP ${CMAKE_CURRENT_BINARY_DIR}/generated/WebAssets.cpp)
add_custom_command(
  OUTPUT ${VELTRIX_WEB_ASSETS_CPP}
  COMMAND ${CMAKE_COMMAND} -DASSETS_DIR=${VELTRIX_WEB_DIR}/assets -DOUTPUT=${VELTRIX_WEB_ASSETS_CPP}
          -P ${CMAKE_CURRENT_LIST_DIR}/WebPage.cmake
  DEPENDS ${VELTRIX_WEB_ASSETS} ${CMAKE_CURRENT_LIST_DIR}/WebPage.cmake
  COMMENT "Embedding the web page's assets")

add_library(veltrix_web_page STATIC
  ${VELTRIX_WEB_DIR}/Assets.cpp ${VELTRIX_WEB_DIR}/DialogControls.cpp ${VELTRIX_WEB_DIR}/FileChooser.cpp
  ${VELTRIX_WEB_DIR}/HelpPage.cpp ${VELTRIX_WEB_DIR}/Json.cpp ${VELTRIX_WEB_DIR}/ListingPages.cpp
  ${VELTRIX_WEB_ASSETS_CPP})
target_link_libraries(veltrix_web_page PUBLIC veltrix_frontend)
target_compile_definitions(veltrix_web_page PRIVATE VELTRIX_VERSION="${PROJECT_VERSION}")

# The server itself, from Debian's libcpp-httplib-dev.
find_path(VELTRIX_HTTPLIB_INCLUDE httplib.h)
find_library(VELTRIX_HTTPLIB_LIBRARY cpp-httplib)
find_package(Threads REQUIRED)
if(VELTRIX_HTTPLIB_INCLUDE AND VELTRIX_HTTPLIB_LIBRARY)
  add_library(veltrix_web STATIC ${VELTRIX_WEB_DIR}/PageServer.cpp ${VELTRIX_WEB_DIR}/WebFrontEnd.cpp)
  target_include_directories(veltrix_web PRIVATE ${VELTRIX_HTTPLIB_INCLUDE})
  target_link_libraries(veltrix_web PUBLIC veltrix_web_page ${VELTRIX_HTTPLIB_LIBRARY} Threads::Threads)
  target_compile_definitions(veltrix_web PRIVATE VELTRIX_VERSION="${PROJECT_VERSION}")
  target_link_libraries(veltrix PRIVATE veltrix_web)
  target_compile_definitions(veltrix PRIVATE VELTRIX_WITH_WEB_PAGE=1)
else()
  message(WARNING "httplib.h or libcpp-httplib not found (Debian: libcpp-httplib-dev): veltrix --ui is left out")
endif()

if(TARGET veltrix_tests)
  target_link_libraries(veltrix_tests PRIVATE veltrix_web_page)
endif()
