"""Works the running player through AT-SPI as a screen reader would.

Usage: atspi_client.py press NAME | toggle NAME | checked NAME | value NAME [NEW]
Prints what it read; exits 1 when the control is not found or has not the action.
"""
import sys

import pyatspi

ROLES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TOGGLE_BUTTON,
         pyatspi.ROLE_SLIDER}


def find(node, name):
    if node is None:
        return None
    if node.name == name and node.getRole() in ROLES:
        return node
    for index in range(node.childCount):
        found = find(node.getChildAtIndex(index), name)
        if found is not None:
            return found
    return None


def player():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        application = desktop.getChildAtIndex(index)
        if application is not None and application.name == "zorvan":
            return application
    return None


def run(command, name, new_value=None):
    control = find(player(), name)
    if control is None:
        return 1
    if command == "checked":
        print("checked" if control.getState().contains(pyatspi.STATE_CHECKED) else "unchecked")
        return 0
    if command == "value":
        value = control.queryValue()
        if new_value is not None:
            value.currentValue = float(new_value)
        print(int(value.currentValue))
        return 0
    action = control.queryAction()
    wanted = {"press": "Press", "toggle": "Toggle"}[command]
    for index in range(action.nActions):
        if action.getName(index) == wanted:
            return 0 if action.doAction(index) else 1
    return 1


sys.exit(run(*sys.argv[1:]))
