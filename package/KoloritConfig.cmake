# Kolorit for C++ clients:
#     find_package(Kolorit 1.0 REQUIRED)
#     target_link_libraries(app PRIVATE Kolorit::Kolorit)
# Kolorit::Kolorit brings the generated headers (include "frame/KoloritTypes.h")
# and compiles the identifiers (CLSID_..., IID_..., LIBID_...) into the
# client; they are C files, so C is enabled here if the project has not. The
# DLLs are registered, not linked: Kolorit_DLL_DIR is the folder of those
# matching the client's bitness.

get_filename_component(_kolorit_root "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

get_property(_kolorit_languages GLOBAL PROPERTY ENABLED_LANGUAGES)
if(NOT "C" IN_LIST _kolorit_languages)
    enable_language(C)
endif()

# kolorit.h includes <vellum.h>, the other headers "vellum/vellum.h".
if(NOT TARGET Kolorit::Kolorit)
    add_library(Kolorit::Kolorit INTERFACE IMPORTED)
    set_target_properties(Kolorit::Kolorit PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES "${_kolorit_root}/include;${_kolorit_root}/include/vellum"
        INTERFACE_SOURCES "${_kolorit_root}/include/kolorit_i.c;${_kolorit_root}/include/vellum/vellum_i.c"
        INTERFACE_LINK_LIBRARIES "ole32;oleaut32;uuid")
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(Kolorit_DLL_DIR "${_kolorit_root}/x86")
else()
    set(Kolorit_DLL_DIR "${_kolorit_root}/x64")
endif()
unset(_kolorit_root)
unset(_kolorit_languages)
