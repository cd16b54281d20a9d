"""Works the running player through AT-SPI as a screen reader would.

Usage: atspi_client.py press NAME | toggle NAME | checked NAME | value NAME [NEW]
Prints what it read; exits 1 when the control is not found or has not the action.
"""
import sys

import pyatspi

ROLES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TOGGLE_BUTTON,
         pyatspi.ROLE_SLIDER}


def run(command, name, new_value=None):
    desktop = pyatspi.Registry.getDesktop(0)
    player = next((application for application in desktop
                   if application is not None and application.name == "zorvan"), None)
    control = None if player is None else pyatspi.findDescendant(
        player, lambda node: node.name == name and node.getRole() in ROLES)
    if control is None:
        return 1
    if command == "checked":
        print("checked" if control.getState().contains(pyatspi.STATE_CHECKED) else "unchecked")
    elif command == "value":
        value = control.queryValue()
        if new_value is not None:
            value.currentValue = float(new_value)
        print(int(value.currentValue))
    else:
        action = control.queryAction()
        wanted = command.capitalize()
        names = [action.getName(index) for index in range(action.nActions)]
        return 0 if wanted in names and action.doAction(names.index(wanted)) else 1
    return 0


sys.exit(run(*sys.argv[1:]))
