# Every target of the project gets the same warning set; CI builds with
# TOVA_WERROR=ON so that a new warning fails the build.
add_library(tova_warnings INTERFACE)
target_compile_options(tova_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                               -Wold-style-cast -Wcast-align -Woverloaded-virtual)
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
