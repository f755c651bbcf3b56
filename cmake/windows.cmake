# The Windows executable tesra.exe, its batch files and the zip for users.
# Included by the top-level CMakeLists.txt when building for Windows.

enable_language(RC)

# The window code of the settings dialog: the only library that sees <windows.h>.
file(GLOB TESRA_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/settings/win32/*.cpp)
add_library(tesra_win32 STATIC ${TESRA_WIN32_SOURCES})
target_include_directories(tesra_win32 PUBLIC ${PROJECT_SOURCE_DIR})
# Windows 7 headers: newer calls (per-monitor DPI) are looked up at run time.
target_compile_definitions(tesra_win32 PUBLIC
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(tesra_win32 PUBLIC tesra_dialog tesra_app comctl32 comdlg32 gdi32 gdiplus user32 imm32)

# WIN32: the GUI subsystem, so no console opens when the host starts a drawing run.
add_executable(tesra WIN32 app/main_win.cpp settings/win32/tesra.rc)
target_link_libraries(tesra PRIVATE tesra_win32 shell32)
# -municode: the entry is wWinMain. -static: no libstdc++/libgcc/winpthread DLLs beside the exe.
target_link_options(tesra PRIVATE -municode -static)
set_source_files_properties(settings/win32/tesra.rc PROPERTIES
  OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/settings/win32/tesra.manifest)

# The host reads batch files as CP932 with CR LF; they are kept as UTF-8
# templates and converted here.
find_program(TESRA_ICONV iconv REQUIRED)
set(TESRA_PACKAGE_FILES)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
foreach(name tesra_settei.bat tesra_2ten.bat tesra_renzoku.bat tesra_sentaku.bat tesra_norimen.bat tesra_touroku.bat
             readme.txt tesra_symbols.txt)
  set(utf8 ${CMAKE_BINARY_DIR}/package-utf8/${name})
  set(cp932 ${CMAKE_BINARY_DIR}/package/${name})
  configure_file(${PROJECT_SOURCE_DIR}/package/${name}.in ${utf8} @ONLY NEWLINE_STYLE CRLF)
  execute_process(COMMAND ${TESRA_ICONV} -f UTF-8 -t CP932 INPUT_FILE ${utf8} OUTPUT_FILE ${cp932}
                  RESULT_VARIABLE converted)
  if(NOT converted EQUAL 0)
    message(FATAL_ERROR "package/${name}.in has text that CP932 cannot hold")
  endif()
  list(APPEND TESRA_PACKAGE_FILES ${cp932})
endforeach()

install(TARGETS tesra RUNTIME DESTINATION .)
install(FILES ${TESRA_PACKAGE_FILES} DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tesra)
set(CPACK_PACKAGE_FILE_NAME tesra-${PROJECT_VERSION}-win64)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
