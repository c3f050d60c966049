#pragma once

#include <QAccessible>
#include <QDBusVirtualObject>
#include <QPointer>

// Stands in front of Qt's accessibility bridge on the accessibility bus. The bridge takes a
// property name from the second argument of every Properties call; a GetAll has only the
// interface, so a reader's GetAll made it read past the arguments and crash the program.
class CAccessibilityGuard final : public QDBusVirtualObject,
                                  public QAccessible::ActivationObserver {
 public:
  CAccessibilityGuard();
  ~CAccessibilityGuard() override;

  void accessibilityActiveChanged(bool active) override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  QString introspect(const QString& path) const override;

 private:
  void TakeOverTree();

  QPointer<QDBusVirtualObject> m_bridge;
};
