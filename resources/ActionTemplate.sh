# A Glimra action plug-in run by the Korn shell.
#
# Keep "Action" in the file name and the ".sh" ending: that is how Glimra finds it.
# The guess arrives as environment variables and nothing else of Glimra's environment (not
# even PATH or HOME); the selected text, when there is one, arrives on standard input.
#
#   ksh THIS_FILE actions          print one title per line for each action you offer
#                                  (the variables hold the ACT_ results and ACT_FOUND);
#                                  exit with status 0.
#   ksh THIS_FILE execute TITLE    the user chose TITLE; the variables also hold the CTX_
#                                  facts of the guess.
# Each run must finish within 5 seconds.

PATH=/usr/local/bin:/usr/bin:/bin

case "$1" in
actions)
    # Change this: here an action is offered whenever the guess found a file.
    [ -f "$ACT_PATH" ] && echo "make a backup copy"
    ;;
execute)
    case "$2" in
    "make a backup copy")
        # Change this: what the action does.
        cp -p -- "$ACT_PATH" "$ACT_PATH.bak"
        ;;
    esac
    ;;
esac
exit 0
