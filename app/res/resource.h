// Resource numbers of the program's icon, pictures and cursor.
#pragma once

#define IDI_PROGRAM 1
#define IDC_HAND_POINTER 200

// Pictures: each is stored at several sizes, picture k at n pixels as the
// resource k x 1000 + n (tavrik.rc), so that the program draws it sharp at
// any display scale.
#define IDR_LOGO 11
#define IDR_FOLDER 12
#define IDR_EMAIL 13
#define IDR_OK 14
#define IDR_ERROR 15
#define IDR_WAIT 16
