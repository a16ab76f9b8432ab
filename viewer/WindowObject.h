// CWindowObject: the base of every window object of the plug-in (the frame,
// the property sheet, the pages, the controls they take over).
//
// There is one way to bind a window to its object: the object subclasses the
// window (SetWindowSubclass) with the object pointer as the subclass data.
// Where the binding starts depends on who creates the window, but it always
// goes through Attach():
//   - windows of the plug-in's own class (CreateEx): at WM_NCCREATE, from
//     CREATESTRUCT.lpCreateParams;
//   - dialog pages: at WM_INITDIALOG, from PROPSHEETPAGE.lParam;
//   - windows that exist already (the property sheet, controls of a dialog
//     template): by calling Attach() with their handle.
// FromHandle() reads the same subclass data, so it answers null for every
// window that is not the plug-in's (the host's, or a control nobody took
// over). The binding is removed at WM_NCDESTROY, when the object is
// destroyed, or by Detach().
#pragma once

#include <windows.h>

class CWindowObject {
public:
    CWindowObject() = default;
    // Unbinds a window that is still attached, so that no message can reach a
    // destroyed object. It does not destroy the window: derived classes that
    // own their window destroy it in their own destructor.
    virtual ~CWindowObject();

    CWindowObject(const CWindowObject&) = delete;
    CWindowObject& operator=(const CWindowObject&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to `hWnd`, or null for a window that is not one of ours.
    static CWindowObject* FromHandle(HWND hWnd);

    // Binds an existing window to this object. Fails when this object already
    // has a window or the window already belongs to another object.
    BOOL Attach(HWND hWnd);
    // Unbinds the window and returns it; the window itself stays.
    HWND Detach();

    // Creates a window of the plug-in's own window class, bound to this object
    // before its first WM_NCCREATE returns, so that WM_CREATE already reaches
    // WindowProc. The class is registered on first use.
    // Virtual so that an object owned by its window can take that ownership
    // once creation has succeeded.
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, HWND hParent,
                          UINT_PTR nId, const char* pszText = nullptr);

    // Unregisters the plug-in's own window class, for the module's unloading:
    // a class registered by a DLL outlives the DLL, with a window procedure
    // pointing into unloaded code. Fails (harmlessly) while windows of the
    // class still exist.
    static void UnregisterWindowClass();

    // A member of the pre-translation chain: nonzero when the message has been
    // handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg) { return FALSE; }

    // Offers a message from a child window to its parent object before the
    // child handles it (notification reflection). Nonzero with *pResult set
    // when the parent has handled it for the child.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
        return FALSE;
    }

    // Offers `pMsg` to the PreTranslateMessage of every plug-in object from its
    // target window up through the parents; the first that handles it ends the
    // walk. Windows that are not ours are passed over; the walk stops at a
    // top-level window, so an owned popup (a message box) never reaches the
    // objects of its owner.
    static BOOL PreTranslateChain(MSG* pMsg);

protected:
    // Every message of the bound window arrives here first.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The processing the window would have had without this object.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs after the last message (WM_NCDESTROY) when the binding is gone;
    // the window handle is already null.
    virtual void PostNcDestroy() {}

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
    static LRESULT CALLBACK ClassWindowProc(HWND hWnd, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static ATOM RegisterObjectClass();
    static ATOM s_classAtom;
};
