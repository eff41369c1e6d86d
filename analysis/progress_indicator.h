#pragma once

namespace velmora {

// What long keyword work reports its progress to: the progress window's bar on the desktop,
// nothing or a terminal bar elsewhere.
class ProgressIndicator {
public:
    virtual ~ProgressIndicator() = default;
    virtual void SetMinimum(int value) = 0;
    virtual void SetMaximum(int value) = 0;
    virtual int Maximum() const = 0;
    virtual void SetPosition(int value) = 0;
    virtual int Position() const = 0;
};

}  // namespace velmora
