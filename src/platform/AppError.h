#pragma once

#include <QString>
#include <exception>
#include <string>

// The program's error object: raised where an operation "raises an error", caught where it can be
// shown (a message box through the message route, or the batch console).
class AppError : public std::exception {
public:
    explicit AppError(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};
