// HIMAGELIST as comctl32 declares it, for the headers that only pass image
// lists on: they need not pull in all of <commctrl.h>.
#pragma once

struct _IMAGELIST;
typedef struct _IMAGELIST* HIMAGELIST;
