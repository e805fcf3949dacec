// Resource numbers of the program's icon, pictures and cursor.
#pragma once

#define IDI_PROGRAM 1
#define IDR_LOGO 101
#define IDR_FOLDER 102
#define IDR_EMAIL 103
#define IDR_OK 104
#define IDR_ERROR 105
#define IDR_WAIT 106
#define IDC_HAND_POINTER 200
