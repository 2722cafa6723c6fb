#pragma once

// The ids of the executable's resources, shared by its resource scripts (src/app) and the code
// that loads them. Plain macros, because the resource compiler reads this file too.
#define KESTRUM_PROGRAM_ICON 1
#define KESTRUM_TREE_IMAGES 201
#define KESTRUM_DESKTOP_PICTURE 202
#define KESTRUM_DOCUMENTS_PICTURE 203
#define KESTRUM_TREE_IMAGES_24 204
