# SPDX-License-Identifier: GPL-3.0-or-later
# The core build's proof that Qt stayed out: halvoran_require_no_qt() fails the configure step when
# Qt was searched for, or when a target of the build imports, links or includes Qt.

function(halvoran_require_no_qt)
  foreach(variable Qt6_DIR Qt5_DIR QT_DIR)
    if(DEFINED CACHE{${variable}})
      message(FATAL_ERROR "The core build searched for Qt (${variable} is set): a core folder uses Qt")
    endif()
  endforeach()
  set(directories ${PROJECT_SOURCE_DIR})
  while(directories)
    list(POP_FRONT directories directory)
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    list(APPEND directories ${subdirectories})
    get_property(imported DIRECTORY ${directory} PROPERTY IMPORTED_TARGETS)
    foreach(target IN LISTS imported)
      if(target MATCHES "^Qt[0-9]*::")
        message(FATAL_ERROR "The core build imports ${target} (in ${directory})")
      endif()
    endforeach()
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES INCLUDE_DIRECTORIES
                       INTERFACE_INCLUDE_DIRECTORIES)
        get_target_property(values ${target} ${property})
        # Qt6::Widgets, -lQt6Widgets, libQt6Core.so, /usr/include/.../qt6/QtCore.
        if(values AND values MATCHES "(^|[;/:lb])Qt[0-9]*(::|[A-Z])|/qt[0-9]*(/|;|$)")
          message(FATAL_ERROR "The core target ${target} uses Qt through ${property}: ${values}")
        endif()
      endforeach()
    endforeach()
  endwhile()
endfunction()
