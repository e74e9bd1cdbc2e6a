#ifndef KT_MATERIAL_ICONV_H
#define KT_MATERIAL_ICONV_H
/* The part of iconv the workbook reader uses, over the Windows code-page API
   (mingw-w64 has no iconv): conversions to UTF-8 from UTF-16LE, ASCII, MacRoman and
   the Windows, DOS and East Asian code pages named "CPnnn". Each call converts its
   whole input or nothing: -1 with errno EILSEQ for a byte sequence that is not valid
   in the source encoding (also a truncated one), E2BIG when the output does not fit. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct kt_iconv_converter* iconv_t;

iconv_t iconv_open(const char* tocode, const char* fromcode);
size_t iconv(iconv_t converter, char** inbuf, size_t* inbytesleft, char** outbuf,
             size_t* outbytesleft);
int iconv_close(iconv_t converter);

#ifdef __cplusplus
}
#endif

#endif
