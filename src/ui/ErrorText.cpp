// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ErrorText.h"

#include "core/Error.h"

#include <QCoreApplication>

#include <new>

QString ErrorText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return MessageText(kOutOfMemory, {});
    const auto* message = dynamic_cast<const EQuilleryError*>(&error);
    if (message == nullptr || message->Template().empty())
        return QString::fromStdString(error.what());
    QString text = MessageText(message->Template().c_str(), message->Arguments());
    if (const auto* assertion = dynamic_cast<const EAssertionFailed*>(message))
        text += QString::fromStdString(assertion->Place());
    return text;
}

QString MessageText(const char* messageTemplate, const std::vector<std::string>& arguments) {
    const QString translated = QCoreApplication::translate(kMessageContext, messageTemplate);
    // Filled after translation, so that a % in a file name is never taken for a placeholder.
    return QString::fromStdString(FillMessage(translated.toStdString(), arguments));
}
