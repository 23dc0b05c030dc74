# moc reads the headers a file includes to expand their macros. Given the
# include folders of Qt and of the C++ library, it reads some 100 000 lines of
# them for each of our files, in its own preprocessor: that was most of the
# time the build spent before the first compile of a test program could
# start (a second or more per file, against a few milliseconds). It needs
# none of them: Q_OBJECT, signals, slots, Q_PROPERTY, Q_ENUM, Q_INVOKABLE and
# Q_EMIT are moc's own words, and a header it cannot find it skips. So moc
# runs here through a wrapper that passes only the folders of this project
# (and no compiler predefinitions: none of our classes depends on them). Its
# output is the same, byte for byte, for all but two of the project's files
# (compared when this was written): for a QLabel it leaves out the
# #include <QtGui/qtextcursor.h> that Qt's header asks it to add
# (Q_MOC_INCLUDE) for QLabel's own slots, which our classes do not use. A
# macro of Qt's in a class body, such as Q_DISABLE_COPY, moc passes over
# alike either way. A type our own classes use in a signal or a property is
# declared by our headers, which moc still reads.
set(CMAKE_AUTOMOC_COMPILER_PREDEFINES OFF)
get_target_property(VX_REAL_MOC Qt6::moc LOCATION)
set(VX_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(VX_BINARY_DIR ${PROJECT_BINARY_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/moc-own-headers.in ${PROJECT_BINARY_DIR}/moc-own-headers
    @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

# Every target of the project that uses AUTOMOC, once all are made.
function(vx_moc_own_headers_in directory)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
        get_target_property(automoc ${target} AUTOMOC)
        if(automoc)
            set_target_properties(${target} PROPERTIES
                AUTOMOC_EXECUTABLE ${PROJECT_BINARY_DIR}/moc-own-headers)
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory ${subdirectories})
        vx_moc_own_headers_in(${subdirectory})
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL vx_moc_own_headers_in
    ${PROJECT_SOURCE_DIR})
