#ifndef KT_MATERIAL_UTF8_FILE_OPEN_H
#define KT_MATERIAL_UTF8_FILE_OPEN_H
/* Forced into the workbook reader's C sources: paths reach it as UTF-8, which the
   narrow fopen of Windows would read in the ANSI code page, so a workbook in a folder
   with characters outside that code page could not be opened. */

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* fopen for a UTF-8 path and mode; null with errno EINVAL when the path is not UTF-8. */
FILE* kt_fopen_utf8(const char* path, const char* mode);

#ifdef __cplusplus
}
#endif

#define fopen kt_fopen_utf8

#endif
