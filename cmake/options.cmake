# One interface target carries the language standard and the warning set, so
# every library, test and tool is built the same way.
add_library(vexilon_options INTERFACE)
target_compile_features(vexilon_options INTERFACE cxx_std_20)
set_target_properties(vexilon_options PROPERTIES INTERFACE_CXX_EXTENSIONS OFF)
target_compile_options(vexilon_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wformat=2 -Wimplicit-fallthrough
  $<$<BOOL:${VEXILON_WERROR}>:-Werror>)
target_include_directories(vexilon_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
set(CMAKE_CXX_EXTENSIONS OFF)

