# Reads the version and names from common/version.h, the one place they live, for what CMake
# writes from them (the application manifests): HANDSET_VERSION_TEXT, HANDSET_PRODUCT_NAME, ...
set(_version_header ${CMAKE_SOURCE_DIR}/common/version.h)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_version_header})
file(STRINGS ${_version_header} _version_lines REGEX "^#define HANDSET_")
foreach(_line IN LISTS _version_lines)
  if(_line MATCHES "^#define (HANDSET_[A-Z_]+) +\"?([^\"]*)\"?$")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  endif()
endforeach()
if(NOT HANDSET_VERSION_TEXT STREQUAL
   "${HANDSET_VERSION_MAJOR}.${HANDSET_VERSION_MINOR}.${HANDSET_VERSION_BUILD}.${HANDSET_VERSION_REVISION}")
  message(FATAL_ERROR "common/version.h: HANDSET_VERSION_TEXT does not match the four numbers")
endif()
