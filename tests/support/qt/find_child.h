#pragma once
// A window's control found by its object name, as the tests see it. A missing
// one throws, so the test fails with the name instead of crashing.

#include <QObject>
#include <QString>

#include <stdexcept>
#include <string>

namespace kesto::test {

template <class T> T* Child(const QObject* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child)
        throw std::runtime_error("no control named " + name.toStdString());
    return child;
}

template <class T> T* Child(const QObject* parent, const char* name) {
    return Child<T>(parent, QString::fromLatin1(name));
}

// Row k of a control array: ("lblName", 3) is lblName_3.
template <class T> T* Child(const QObject* parent, const char* array, int k) {
    return Child<T>(parent, QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(k));
}

} // namespace kesto::test
