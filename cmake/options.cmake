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


# Debian's hardening for the optimised builds that get installed and packed:
# checked string and memory functions, and a relocation table made
# read-only before the program runs. (Fortifying needs the optimiser, so
# the sanitizer and fuzz builds go without.)
set(_vexilon_optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
target_compile_definitions(vexilon_options INTERFACE $<${_vexilon_optimised}:_FORTIFY_SOURCE=2>)
target_link_options(vexilon_options INTERFACE -Wl,-z,relro -Wl,-z,now)
