#pragma once

#include <QString>
#include <ostream>

// Lets GoogleTest show QString values as text in failure messages, line breaks made visible.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"';
    for (const char c : text.toStdString()) {
        switch (c) {
            case '\r':
                *out << "\\r";
                break;
            case '\n':
                *out << "\\n";
                break;
            case '\t':
                *out << "\\t";
                break;
            default:
                *out << c;
        }
    }
    *out << '"';
}
