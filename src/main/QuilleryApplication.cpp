#include "QuilleryApplication.h"

#include "MessageBoxes.h"

#include <exception>

TQuilleryApplication::TQuilleryApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuilleryApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        MessageBoxes::ShowError(activeWindow(), QString::fromStdString(error.what()));
    }
    return false;
}
