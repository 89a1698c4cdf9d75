#pragma once
#include <QString>
#include <string>

inline constexpr const char* kApplicationName = "Sorrelmede";

// Operator texts are ANSI (UTF-8) with Windows line ends; Qt widgets want "\n" alone.
QString toDisplayText(const std::string& text);
// The text of an edit as an operator text: every line end "\r\n".
std::string fromDisplayText(const QString& text);
