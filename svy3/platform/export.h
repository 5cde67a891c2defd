// Symbol export and calling-convention macros of the svy3 shared library.
#pragma once

#if defined(_WIN32)
#if defined(SVY3_BUILDING_LIBRARY)
#define SVY3_API __declspec(dllexport)
#else
#define SVY3_API __declspec(dllimport)
#endif
#if defined(_M_IX86) || defined(__i386__)
#define SVY_STDCALL __stdcall
#else
#define SVY_STDCALL
#endif
#else
#define SVY3_API __attribute__((visibility("default")))
#define SVY_STDCALL
#endif
