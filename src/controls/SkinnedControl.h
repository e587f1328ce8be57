#pragma once
// Common ground of the owner-drawn controls: the property table in declaration order, the
// host's property bag, the "property changed" notice, mouse events with the arguments
// (Button, Shift, X, Y) and the drawing of line and rectangle pieces given in twips.
#include "controls/PropertyBag.h"
#include "controls/SystemColours.h"

#include <QList>
#include <QPixmap>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <type_traits>

class QMouseEvent;
class QPainter;

// A straight line piece, in the coordinates of the control that owns it.
struct ControlLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    OleColour colour = 0;
};

// Arguments of MouseDown, MouseMove and MouseUp. Button: 1 left, 2 right, 4 middle, summed;
// Shift: 1 Shift, 2 Ctrl, 4 Alt, summed; X and Y in twips of the piece that got the event.
struct MouseArgs {
    short Button = 0;
    short Shift = 0;
    float X = 0;
    float Y = 0;
};

class SkinnedControl : public QWidget {
    Q_OBJECT
public:
    struct Property {
        QString name;
        std::function<QVariant(const SkinnedControl&)> get;
        std::function<void(SkinnedControl&, const QVariant&)> set;
    };

    explicit SkinnedControl(QWidget* parent = nullptr);

    // The control's properties in their declaration order.
    virtual const QList<Property>& properties() const;
    QStringList propertyNames() const;
    // Late-bound access: position counted back from the last declared property (last = 0).
    // An unknown position reads as an invalid QVariant and sets nothing (returns false).
    QVariant propertyFromLast(int position) const;
    bool setPropertyFromLast(int position, const QVariant& value);

    // Design-time state from and into the host's bag. Reading marks nothing changed.
    virtual void ReadProperties(PropertyBag& PropBag);
    virtual void WriteProperties(PropertyBag& PropBag) const;

    // The control's own enabled state (a disabled container does not change it).
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Inner size in the control's scale (twips unless the control says otherwise).
    virtual double ScaleWidth() const;
    virtual double ScaleHeight() const;

    // Pieces hand their mouse events here; `pressed` is the piece's own press state, used
    // to tell a click (press and release on the same piece) from a drag off it.
    void deliverMouse(QWidget* piece, QMouseEvent* event, bool& pressed);

    static MouseArgs mouseArgs(const QMouseEvent* event);

    // Drawing of pieces: `pxX` and `pxY` are pixels per unit of the control's scale.
    static int toPixels(double units, double pixelsPerUnit);
    // A line covers its start pixel up to, not including, its end pixel.
    static void drawLine(QPainter& painter, const ControlLine& line, double pxX, double pxY);
    // One-pixel outline just inside a rectangle of w x h pixels at (x, y).
    static void drawOutline(QPainter& painter, OleColour colour, int x, int y, int w, int h);

signals:
    void propertyChanged(const QString& key);

protected:
    // Table entries built from a getter and a setter of a control class.
    template <class C>
    static Property colourProperty(const QString& name, OleColour (C::*get)() const,
                                   void (C::*set)(OleColour))
    {
        return {name,
                [get](const SkinnedControl& c) { return QVariant((static_cast<const C&>(c).*get)()); },
                [get, set](SkinnedControl& c, const QVariant& v) {
                    auto& self = static_cast<C&>(c);
                    (self.*set)(syscolour::fromVariant(v, (self.*get)()));
                }};
    }
    template <class C, class T, class A>
    static Property valueProperty(const QString& name, T (C::*get)() const, void (C::*set)(A))
    {
        using V = std::decay_t<A>;
        return {name,
                [get](const SkinnedControl& c) {
                    return QVariant::fromValue((static_cast<const C&>(c).*get)());
                },
                [set](SkinnedControl& c, const QVariant& v) {
                    if (v.canConvert<V>()) (static_cast<C&>(c).*set)(v.value<V>());
                }};
    }
    static Property enabledProperty();

    // The bag keys every control reads alike: "Enabled" (default true), a colour number
    // (anything that is no number reads as the default) and a picture (none by default).
    void readEnabled(PropertyBag& PropBag);
    void writeEnabled(PropertyBag& PropBag) const;
    static OleColour readColour(PropertyBag& PropBag, const QString& key, OleColour defaultColour);
    static QPixmap readPicture(PropertyBag& PropBag, const QString& key);

    enum class MouseKind { Down, Move, Up };
    // A mouse event of `piece` (this control's surface or one of its pieces).
    virtual void onMouse(QWidget* piece, MouseKind kind, const MouseArgs& args);
    // Hands a mouse event to the one of three handlers (or signals) of `target` its kind names.
    template <class C>
    using MouseHandler = void (C::*)(short Button, short Shift, float X, float Y);
    template <class C>
    static void dispatchMouse(std::type_identity_t<C>& target, MouseKind kind, const MouseArgs& a,
                              MouseHandler<C> down, MouseHandler<C> move, MouseHandler<C> up)
    {
        const MouseHandler<C> handler =
            kind == MouseKind::Down ? down : kind == MouseKind::Move ? move : up;
        (target.*handler)(a.Button, a.Shift, a.X, a.Y);
    }
    // The click that follows a release on the piece that got the press.
    virtual void onClick(QWidget* piece);
    virtual void onEnabledChanged() {}

    // Tells the host that `key` differs from its stored state (not while reading the bag).
    void PropertyChanged(const QString& key);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

    bool m_reading = false;

private:
    void syncEnabled();
    bool passedOnByChild(QMouseEvent* event) const;
    void surfaceMouse(QMouseEvent* event);

    bool m_enabled = true;
    bool m_surfacePressed = false;
};
