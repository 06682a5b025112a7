# Every target of the project gets the same warning set; CI builds with
# TOVA_WERROR=ON so that a new warning fails the build.
add_library(tova_warnings INTERFACE)
target_compile_options(tova_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                               -Wold-style-cast -Wcast-align -Woverloaded-virtual)
# GCC 12 at -O3 reports -Wrestrict inside libstdc++'s string concatenation
# where no overlap can happen (GCC bug 105329, mended in GCC 13); every
# build type must build, so that one warning is left to later compilers.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(tova_warnings INTERFACE -Wno-restrict)
endif()
if(TOVA_WERROR)
  target_compile_options(tova_warnings INTERFACE -Werror)
endif()

# tova_module(NAME SOURCES... DEPENDS deps...): one library per source folder,
# with its dependencies written out so that a wrong include fails the build.
function(tova_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE tova_warnings)
endfunction()
