# Test images: freestanding C, written with the compiled-code kit
# (app/kit/CompiledCode.h, which includes formats/ImageFormat.h), linked by imagelink and appended behind a copy of
# the bare runtime.
#
#   include(TestImages)            # cmake/ is on CMAKE_MODULE_PATH, or include the path
#   add_test_image(NAME answer
#     SOURCES answer.c helpers.c
#     [ENTRY ImageEntry]                       # entry function, ImageEntry by default
#     [RESOURCES WAVE:128:beep.wav TEXT:1:notes.txt]
#     [ICONS icon16.png icon32.png]
#     [VERSION 1,0,0,2,2,15] [SHORT_VERSION "Tavrin 1.0"] [LONG_VERSION "..."] [PACKAGE_INFO "..."]
#     [LOOSE]                                  # also write the loose files
#     [OUTPUT path])                           # instead of ${TEST_IMAGES_DIR}/answer
#
# gives the executable ${TEST_IMAGES_DIR}/answer (runtime + image) and, with
# LOOSE, the folder ${TEST_IMAGES_DIR}/answer.loose holding import.dat,
# code.dat, data.dat, rsrc.dat, options.dat and symbols.dat (run the runtime
# in that folder to load them). The images are built with `all`, by the
# target image_<NAME>. Tests find the folder through the compile definition
# TEST_IMAGES_DIR (set here for every target) and start an image with the
# I386_EMULATOR prefix:  std::string(I386_EMULATOR) + " " + TEST_IMAGES_DIR "/answer".
#
# The sources are compiled with IMAGE_C_FLAGS (below); -ffunction-sections
# lets imagelink put the entry function first and -fno-jump-tables keeps
# switch tables (addresses in data, which an image cannot carry) out.

set(TEST_IMAGES_DIR ${CMAKE_BINARY_DIR}/bin/images)
add_compile_definitions(TEST_IMAGES_DIR="${TEST_IMAGES_DIR}")
set(COMPILED_CODE_KIT_DIR ${CMAKE_SOURCE_DIR}/app/kit)
set(IMAGE_C_FLAGS -m32 -O0 -fno-pic -fno-omit-frame-pointer -fno-stack-protector
    -fcf-protection=none -fno-asynchronous-unwind-tables -ffreestanding
    -ffunction-sections -fno-jump-tables -Wall)

# Compiles one image source to an object under objectDir; the object's path
# goes into outVar.
function(compile_image_source source objectDir outVar)
  get_filename_component(sourcePath ${source} ABSOLUTE)
  get_filename_component(stem ${source} NAME)
  set(object ${objectDir}/${stem}.o)
  add_custom_command(OUTPUT ${object}
    COMMAND ${CMAKE_C_COMPILER} ${IMAGE_C_FLAGS} -I${COMPILED_CODE_KIT_DIR} -I${IMAGE_FORMAT_DIR}
            -MD -MF ${object}.d -c ${sourcePath} -o ${object}
    DEPENDS ${sourcePath}
    DEPFILE ${object}.d
    COMMENT "Compiling image source ${stem}"
    VERBATIM)
  set(${outVar} ${object} PARENT_SCOPE)
endfunction()

function(add_test_image)
  cmake_parse_arguments(IMG "LOOSE" "NAME;OUTPUT;ENTRY;VERSION;SHORT_VERSION;LONG_VERSION;PACKAGE_INFO"
                        "SOURCES;RESOURCES;ICONS" ${ARGN})
  if(NOT IMG_NAME OR NOT IMG_SOURCES)
    message(FATAL_ERROR "add_test_image needs NAME and SOURCES")
  endif()
  set(objectDir ${CMAKE_CURRENT_BINARY_DIR}/${IMG_NAME}.objects)
  file(MAKE_DIRECTORY ${objectDir})
  set(objects)
  foreach(source ${IMG_SOURCES})
    compile_image_source(${source} ${objectDir} object)
    list(APPEND objects ${object})
  endforeach()

  set(options)
  set(inputs)
  if(IMG_ENTRY)
    list(APPEND options --entry ${IMG_ENTRY})
  endif()
  foreach(resource ${IMG_RESOURCES})
    string(REGEX MATCH "^[^:]+:[^:]+:(.*)$" matched "${resource}")
    get_filename_component(file "${CMAKE_MATCH_1}" ABSOLUTE)
    string(REGEX REPLACE "^([^:]+:[^:]+):.*$" "\\1:${file}" resource "${resource}")
    list(APPEND options --resource ${resource})
    list(APPEND inputs ${file})
  endforeach()
  foreach(icon ${IMG_ICONS})
    get_filename_component(icon ${icon} ABSOLUTE)
    list(APPEND options --icon ${icon})
    list(APPEND inputs ${icon})
  endforeach()
  if(DEFINED IMG_VERSION)
    list(APPEND options --version ${IMG_VERSION})
    foreach(text SHORT_VERSION LONG_VERSION PACKAGE_INFO)
      if(DEFINED IMG_${text})
        string(TOLOWER ${text} option)
        string(REPLACE "_" "-" option ${option})
        list(APPEND options --${option} "${IMG_${text}}")
      endif()
    endforeach()
  endif()

  set(image ${TEST_IMAGES_DIR}/${IMG_NAME})
  if(IMG_OUTPUT)
    set(image ${IMG_OUTPUT})
  endif()
  set(outputs ${image})
  list(APPEND options --runtime $<TARGET_FILE:bare_runtime> --output ${image})
  if(IMG_LOOSE)
    list(APPEND outputs ${image}.loose/code.dat)
    list(APPEND options --loose ${image}.loose)
  endif()
  # imagelink is a 32-bit program: it runs through the emulator where the
  # kernel cannot execute it (the variable is empty otherwise).
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:imagelink> ${options} ${objects}
    DEPENDS imagelink bare_runtime ${objects} ${inputs}
    COMMENT "Linking test image ${IMG_NAME}"
    VERBATIM)
  add_custom_target(image_${IMG_NAME} ALL DEPENDS ${outputs})
endfunction()
