#pragma once
#include <string>

namespace platform {

// Where the window's events go; the element is its index in the layout table,
// FormIndex for the window itself.
class FormEvents {
public:
    static constexpr int FormIndex = -1;
    virtual void OnClick(int element) = 0;
    virtual void OnChange(int element) = 0;
    virtual void OnKeyUp(int element, int key, int shift) = 0;
    virtual void OnMouseUp(int element, int button, int shift, float x, float y) = 0;
    // Files or folders dragged from the shell onto the window: the first of them.
    virtual void OnDrop(const std::wstring& path) = 0;
    // A runtime error that no handler trapped reached the message loop.
    virtual void OnUntrappedError(int number, const std::wstring& description) = 0;

protected:
    ~FormEvents() = default;
};

}  // namespace platform
