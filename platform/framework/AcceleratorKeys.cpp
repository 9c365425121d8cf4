#include "AcceleratorKeys.h"

#include "AfxRes.h"

namespace {

int QtKey(unsigned vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return static_cast<int>(vk);  // Qt's keys for letters and digits are their ASCII codes
    }
    if (vk >= VK_F1 && vk < VK_F1 + 24) {
        return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    }
    switch (vk) {
        case VK_BACK:
            return Qt::Key_Backspace;
        case VK_INSERT:
            return Qt::Key_Insert;
        case VK_DELETE:
            return Qt::Key_Delete;
        default:
            return Qt::Key_unknown;
    }
}

}  // namespace

QKeySequence AcceleratorKeySequence(const AcceleratorEntry& entry) {
    Qt::KeyboardModifiers modifiers;
    if (entry.flags & FSHIFT) {
        modifiers |= Qt::ShiftModifier;
    }
    if (entry.flags & FCONTROL) {
        modifiers |= Qt::ControlModifier;
    }
    if (entry.flags & FALT) {
        modifiers |= Qt::AltModifier;
    }
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(QtKey(entry.key))));
}
