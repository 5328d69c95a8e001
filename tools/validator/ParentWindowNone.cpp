#include "tools/validator/ParentWindow.h"

std::unique_ptr<ParentWindow> ParentWindow::create(std::string& whyNot) {
    whyNot = "the validator was built without a window system";
    return nullptr;
}
