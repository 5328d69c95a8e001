// What the toolkit asks of the platform's own widgets: a single-line edit field placed over a
// window while a text entry is edited, and a pop-up menu tracked modally for a choice menu.
// Exactly one backend implements these functions; handles are opaque to the toolkit.
// Called from the host's GUI thread only.
#pragma once

#include "gui/Geometry.h"

#include <cstdint>

namespace platform {

struct EditField;
struct GraphicsObject;
struct Menu;
struct Window;

enum class EditFieldEvent { Return, FocusLost };

// The toolkit's filter of an edit field, called before the field's own handling of Return and
// of the loss of the keyboard focus. It may destroy the field, also from inside the
// destruction (which takes the focus away).
using EditFieldProcedure = void (*)(EditField* field, EditFieldEvent event);

// A visible single-line field, a child of parent over rect (the parent's client coordinates),
// its text centred and scrolled sideways as the caret needs, without margins, in font (which
// the caller keeps until the field is gone). It takes the keyboard focus. userData is the
// field's user-data slot. null on failure.
EditField* createEditField(Window* parent, const Rect& rect, const char* text, GraphicsObject* font,
                           EditFieldProcedure procedure, void* userData);
void destroyEditField(EditField* field);
void setEditFieldUserData(EditField* field, void* userData);
void* editFieldUserData(EditField* field);
// Copies at most size - 1 characters of the field's text and a NUL; returns their number.
std::int32_t editFieldText(EditField* field, char* text, std::int32_t size);

Menu* createPopupMenu();
void destroyMenu(Menu* menu);
void appendMenuItem(Menu* menu, const char* text, std::int32_t command, bool checked);
void appendMenuSeparator(Menu* menu);
// Shows the menu with its top-left corner at point (screen coordinates), owned by owner, until
// the user chooses an item or closes the menu: the chosen item's command, or -1. The click that
// closed the menu does not reach the owner.
std::int32_t trackPopupMenu(Menu* menu, Window* owner, Point point);

} // namespace platform
