#include "ui/desktop/InstanceChannel.h"

namespace tilava {

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

void InstanceChannel::Ukaz() {
    emit showRequested();
}

} // namespace tilava
