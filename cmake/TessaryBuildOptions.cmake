# Every target links TessaryBuildOptions: language level, warnings and Qt definitions live here only.
add_library(TessaryBuildOptions INTERFACE)
target_compile_features(TessaryBuildOptions INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(TessaryBuildOptions INTERFACE -Wall -Wextra -Wpedantic
  # GCC 12 reports std::variant and std::optional members of Qt types as maybe-uninitialized when it
  # inlines their moves at -O2: false positives that -Werror would turn into failed builds.
  -Wno-maybe-uninitialized)
if("$ENV{CI}" STREQUAL "true")
  target_compile_options(TessaryBuildOptions INTERFACE -Werror)
endif()

target_compile_definitions(TessaryBuildOptions INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS
)

if(TESSARY_SANITIZE)
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_compile_options(TessaryBuildOptions INTERFACE ${sanitizers})
  target_link_options(TessaryBuildOptions INTERFACE ${sanitizers})
endif()

# For tests and benchmarks that run scripts: the helper is built first and its path is TESSARY_JSENGINE_PATH.
function(tessary_use_helper target)
  target_compile_definitions(${target} PRIVATE TESSARY_JSENGINE_PATH="$<TARGET_FILE:TessaryJSEngine>")
  add_dependencies(${target} TessaryJSEngine)
endfunction()
