#pragma once

// What a frame asks for before its window is made; PreCreateWindow may change it.
struct CREATESTRUCT {
    unsigned style = 0;
};
