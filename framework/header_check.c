/* zif.h compiles as C and its types are usable from C. */
#include "framework/include/zif.h"

int zif_header_check_from_c(void)
{
    zif_context *context = 0;
    if (zif_create(&context) != 0)
        return 0;
    zif_object *table = zif_newTable(context);
    zif_tableSetString(table, "format", "yuv.separate");
    zif_object *format = zif_tableGet(table, "format");
    zif_char16 *wide = zif_stringToUTF16(format);
    int ok = wide && wide[0] == 'y';
    zif_free(context, wide);
    zif_release(format);
    zif_release(table);
    zif_destroy(context);
    return ok;
}
