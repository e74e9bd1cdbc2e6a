#ifndef KT_MATERIAL_LOCALCHARSET_H
#define KT_MATERIAL_LOCALCHARSET_H
/* The workbook reader includes this header on Windows but uses nothing from it: it
   never converts to or from the user's locale, only from the workbook's code page. */
#endif
