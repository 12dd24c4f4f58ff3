// Plays the user in a modal dialog that the code under test opens, so that a
// test never hangs on it.
//
//     testsupport::WhenModal<frmGrid>([](frmGrid& d) { d.cmdOK->click(); });
//     menu->trigger();   // runs the dialog; the action runs inside it
//
// The action runs once a dialog of the type is the active modal widget,
// shown, ready (see Await) and the program is not inside one of its own
// event pumps (a dialog that pumps while it fills itself is not ready yet).
// Every wait has a bound that fails the test with a message naming the
// dialog. The dialog is closed when the action fails (a failed assertion,
// an exception), when the action leaves it open past the bound, and when it
// never becomes ready; so the test goes on and later tests are not blocked.
// A player that never acted fails its test when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>

namespace testsupport {

// What "ready" means beyond shown and out of the program's pumps.
template <class D>
struct Await {
    bool active = false;                  // also the active window (focus checks run only there)
    std::function<bool(D&)> ready{};     // a condition of the dialog's own, e.g. its list is filled
    bool inPumps = false;                 // may act inside the program's pumps (a window that only
                                          // shows progress while the work pumps)
};

namespace detail {
// Starts a player; `find` returns the dialog when it is of the type and
// ready, `act` gets it. Lives until the dialog is closed or the test ends.
void StartPlayer(std::string name, bool active, bool inPumps, std::function<QWidget*(bool& ofType)> find,
                 std::function<void(QWidget*)> act);
} // namespace detail

// `act` takes the dialog as D& or D*.
template <class D, class F>
void WhenModal(F act, Await<D> await = {}) {
    detail::StartPlayer(
        typeid(D).name(), await.active, await.inPumps,
        [ready = std::move(await.ready)](bool& ofType) -> QWidget* {
            auto* d = dynamic_cast<D*>(QApplication::activeModalWidget());
            ofType = d != nullptr;
            return d && (!ready || ready(*d)) ? d : nullptr;
        },
        [act = std::move(act)](QWidget* w) mutable {
            D* d = dynamic_cast<D*>(w);
            if constexpr (std::is_invocable_v<F&, D&>) act(*d);
            else act(d);
        });
}

// Closes a modal dialog so that its exec returns even when the dialog
// refuses to close (busy, say).
void CloseModal(QWidget* dialog);

// Ends the players still waiting when a test ends (installed by the shared
// main).
void EndPlayers();

} // namespace testsupport
