#pragma once

#include "player/CaptionLabel.h"
#include "player/SkinButton.h"
#include "player/VolumeKnob.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <type_traits>

// A window's controls found by their object names, as KeePassXC's GUI tests find theirs. `owner`
// is a widget, a pointer or a smart pointer to one; a name that matches nothing stops the test
// at once.
template <typename Owner> const QObject* objectOf(const Owner& owner)
{
    if constexpr (std::is_pointer_v<Owner>)
        return owner;
    else if constexpr (std::is_base_of_v<QObject, Owner>)
        return &owner;
    else
        return owner.get();
}

template <typename T, typename Owner> T* named(const Owner& owner, const char* name)
{
    const QObject* parent = objectOf(owner);
    T* found = parent ? parent->template findChild<T*>(QLatin1String(name)) : nullptr;
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

template <typename Owner> QAction* action(const Owner& owner, const char* name)
{
    return named<QAction>(owner, name);
}

template <typename Owner> QAction* recentAction(const Owner& owner, int index)
{
    const QByteArray name = "recentAction" + QByteArray::number(index + 1);
    return named<QAction>(owner, name.constData());
}

template <typename Owner> SkinButton* button(const Owner& owner, const char* name)
{
    return named<SkinButton>(owner, name);
}

template <typename Owner> QLabel* label(const Owner& owner, const char* name)
{
    return named<QLabel>(owner, name);
}

template <typename Owner> CaptionLabel* titleLabel(const Owner& owner)
{
    return named<CaptionLabel>(owner, "titleLabel");
}

template <typename Owner> QTimer* timer(const Owner& owner, const char* name)
{
    return named<QTimer>(owner, name);
}

template <typename Owner> VolumeKnob* volumeKnob(const Owner& owner)
{
    return named<VolumeKnob>(owner, "volumeKnob");
}

// The pointer moving over a widget, with no button held.
void pointerOver(QWidget* widget);
