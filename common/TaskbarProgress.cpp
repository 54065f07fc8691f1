#include "common/TaskbarProgress.h"

#include <objbase.h>

TaskbarProgress::TaskbarProgress() {
    images_ = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
    comInitialized_ = SUCCEEDED(::CoInitialize(nullptr));
    CreateTaskbar(CLSCTX_INPROC_SERVER);
}

TaskbarProgress::~TaskbarProgress() {
    if (taskbar_ != nullptr) {
        taskbar_->Release();
    }
    if (images_ != nullptr) {
        ::ImageList_Destroy(images_);
    }
    if (comInitialized_) {
        ::CoUninitialize();
    }
}

void TaskbarProgress::CreateTaskbar(DWORD context) {
    ITaskbarList3* taskbar = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_TaskbarList, nullptr, context, IID_ITaskbarList3,
                                     reinterpret_cast<void**>(&taskbar)))) {
        if (SUCCEEDED(taskbar->HrInit())) {
            taskbar_ = taskbar;
        } else {
            taskbar->Release();
        }
    }
}

void TaskbarProgress::Attach(HWND window) {
    window_ = window;
    if (taskbar_ == nullptr) {
        CreateTaskbar(CLSCTX_ALL);
    }
    SetState(TBPF_INDETERMINATE);
}

bool TaskbarProgress::SetState(TBPFLAG state) {
    return taskbar_ != nullptr && window_ != nullptr &&
           SUCCEEDED(taskbar_->SetProgressState(window_, state));
}

bool TaskbarProgress::SetValue(ULONGLONG done, ULONGLONG total) {
    return taskbar_ != nullptr && window_ != nullptr &&
           SUCCEEDED(taskbar_->SetProgressValue(window_, done, total));
}
