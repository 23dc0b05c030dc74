// The source file of the libraries that only build the shared precompiled
// headers (see PrecompiledQt.cmake); it compiles to nothing.
