// The Win32 backend of the platform seam. It implements, with the USER and GDI calls of the
// same names:
//  - objects: GetCurrentObject, SelectObject, DeleteObject, CreatePenIndirect,
//    CreateBrushIndirect, CreateFontIndirectA, GetStockObject(NULL_PEN);
//  - device context state: SetBkMode, SetBkColor, SetTextColor;
//  - primitives: MoveToEx, LineTo, Polyline, Polygon, FillRect, Arc, Ellipse, Pie, SetPixel,
//    DrawTextA (single line, vertically centred);
//  - memory contexts and bitmaps: CreateCompatibleDC, DeleteDC, CreateCompatibleBitmap,
//    CreateBitmap (monochrome), BitBlt (SRCCOPY, SRCAND, SRCPAINT), GetMapMode/SetMapMode,
//    DPtoLP, LoadBitmapA from the module instance, GetObjectA;
//  - windows: RegisterClassA/UnregisterClassA (arrow cursor, button-face background),
//    CreateWindowExA (child, visible), DestroyWindow, the user-data slot, GetUpdateRect,
//    BeginPaint/EndPaint, UpdateWindow, GetDC/ReleaseDC, GetWindowRect, and a window
//    procedure that hands WM_PAINT, WM_LBUTTONDOWN, WM_RBUTTONDOWN and WM_DESTROY to the toolkit
//    before DefWindowProcA (the host's message loop dispatches them);
//  - native widgets: the "EDIT" control (centred, scrolling, no margins, WM_SETFONT, SetFocus)
//    with a filter procedure that gives WM_KILLFOCUS and Return to the toolkit before the
//    control's own procedure (CallWindowProcA), GetWindowTextA; pop-up menus with
//    CreatePopupMenu, AppendMenuA (items with check marks, separators), TrackPopupMenu, the
//    WM_COMMAND of the choice and the closing click taken from the queue (PeekMessageA),
//    DestroyMenu;
//  - input: GetCursorPos with MapWindowPoints, GetAsyncKeyState, GetTickCount.
// For test programs it also makes canvases: memory contexts over 32-bit pixels that can be
// read back. Everything runs on the host's GUI thread.
#pragma once

#include "gui/platform/Drawing.h"

#include <cstdint>
#include <vector>

namespace win32 {

// A memory context over a width x height 32-bit bitmap filled with color. Free it with
// deleteCanvas.
platform::DeviceContext* createCanvas(std::int32_t width, std::int32_t height,
                                      platform::ColorValue color);
void deleteCanvas(platform::DeviceContext* canvas);
// A canvas's pixels as ColorValues (red | green << 8 | blue << 16), row by row.
std::vector<std::uint32_t> canvasPixels(platform::DeviceContext* canvas);

} // namespace win32
