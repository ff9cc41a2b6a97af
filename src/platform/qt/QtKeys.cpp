#include "platform/qt/QtKeys.h"

#include <Qt>

#include "platform/KeyCodes.h"

namespace wendra::platform::qt {

RoutedKey routeKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Select:
            return {KeyRoute::Key, kKeyEnter};
        case Qt::Key_Left:
            return {KeyRoute::Key, kKeyLeft};
        case Qt::Key_Up:
            return {KeyRoute::Key, kKeyUp};
        case Qt::Key_Right:
            return {KeyRoute::Key, kKeyRight};
        case Qt::Key_Down:
            return {KeyRoute::Key, kKeyDown};
        case Qt::Key_Escape:
            return {KeyRoute::Key, kKeyEscape};
        case Qt::Key_Backspace:
            return {KeyRoute::Key, kKeyBack};
        case Qt::Key_Delete:
            return {KeyRoute::Key, kKeyDelete};
        case Qt::Key_Space:
            return {KeyRoute::Key, kKeySpace};
        case Qt::Key_F9:
            return {KeyRoute::SoftKeyLeft, 0};
        case Qt::Key_F10:
            return {KeyRoute::SoftKeyRight, 0};
        default:
            break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kApplicationKeyCount)
        return {KeyRoute::HotKey, kFirstApplicationKey + (qtKey - Qt::Key_F1)};
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return {KeyRoute::Key, qtKey};  // Qt's codes for these are their ASCII codes
    return {};
}

}  // namespace wendra::platform::qt
