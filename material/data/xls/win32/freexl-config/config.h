/* Configuration of the workbook reader's C sources for the mingw-w64 build, in place
   of the header its configure script writes; VERSION comes from the build. */
#define HAVE_MATH_H 1
#define HAVE_STDINT_H 1
#define HAVE_STDIO_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1
#define HAVE_SYS_STAT_H 1
#define HAVE_SYS_TYPES_H 1
#define HAVE_UNISTD_H 1
#define HAVE_SQRT 1
#define HAVE_STRERROR 1
#define HAVE_STRFTIME 1
#define HAVE_STRSTR 1
#define STDC_HEADERS 1
