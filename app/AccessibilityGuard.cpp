#include "app/AccessibilityGuard.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace {

// The bridge's connection to the accessibility bus, and the tree it serves there.
const QString kBridgeConnection = QStringLiteral("a11y");
const QString kTreePath = QStringLiteral("/org/a11y/atspi/accessible");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

}  // namespace

CAccessibilityGuard::CAccessibilityGuard() { QAccessible::installActivationObserver(this); }

CAccessibilityGuard::~CAccessibilityGuard() { QAccessible::removeActivationObserver(this); }

void CAccessibilityGuard::accessibilityActiveChanged(bool active) {
  // The bridge turns active from the event loop and registers its tree right after saying so.
  if (active) {
    QMetaObject::invokeMethod(this, &CAccessibilityGuard::TakeOverTree, Qt::QueuedConnection);
  }
}

bool CAccessibilityGuard::handleMessage(const QDBusMessage& message,
                                        const QDBusConnection& connection) {
  if (message.interface() == kProperties && message.arguments().size() < 2) {
    const bool get_all = message.member() == QStringLiteral("GetAll");
    connection.send(message.createErrorReply(
        get_all ? QDBusError::NotSupported : QDBusError::InvalidArgs,
        get_all ? QStringLiteral("ask for each property with Get")
                : QStringLiteral("an interface and a property name are needed")));
    return true;
  }
  return m_bridge && m_bridge->handleMessage(message, connection);
}

QString CAccessibilityGuard::introspect(const QString& path) const {
  return m_bridge ? m_bridge->introspect(path) : QString();
}

void CAccessibilityGuard::TakeOverTree() {
  QDBusConnection bus(kBridgeConnection);
  auto* bridge = qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(kTreePath));
  if (!bridge || bridge == this) return;
  m_bridge = bridge;
  bus.unregisterObject(kTreePath, QDBusConnection::UnregisterTree);
  bus.registerVirtualObject(kTreePath, this, QDBusConnection::SubPath);
}
