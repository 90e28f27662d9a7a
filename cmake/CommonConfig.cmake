# Settings shared by every target of the project.
add_library(karvo_common INTERFACE)
target_compile_features(karvo_common INTERFACE cxx_std_20)
target_compile_options(karvo_common INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
  $<$<BOOL:${KARVO_WERROR}>:-Werror>)
target_include_directories(karvo_common INTERFACE ${PROJECT_SOURCE_DIR})

# Sanitizers for the Qt-free core and its tests.
add_library(karvo_sanitize INTERFACE)
if(KARVO_SANITIZE)
  target_compile_options(karvo_sanitize INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(karvo_sanitize INTERFACE -fsanitize=address,undefined)
endif()

# A Qt-free static library of the sources given.
function(karvo_core_library name)
  add_library(${name} STATIC ${ARGN})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_link_libraries(${name} PUBLIC karvo_common karvo_sanitize)
endfunction()

# A plug-in: a shared object with only the exported C functions visible.
function(karvo_plugin name output_name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES
    PREFIX "" OUTPUT_NAME ${output_name} SUFFIX ""
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY ${KARVO_PLUGIN_DIR})
  target_link_libraries(${name} PRIVATE karvo_common)
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
endfunction()
