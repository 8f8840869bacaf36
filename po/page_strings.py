"""The browser page's texts (web/index.html, web/page.js), marked for
xgettext so that they are translated with the game's own. The page's code
reads them from the translations under these English texts."""


def N_(s):
    return s


def C_(context, s):
    return s


PAGE = [
    # Translators: the page's title is the game's name and stays as it is;
    # this is the page's description for search engines and link previews.
    N_('Zorvane, a small sorting puzzle: drag road signs into the rows of their '
       'families, with the mouse or a finger.'),
    # Translators: the name of the language of this translation, written in
    # that language, as a menu of languages lists it (Deutsch, Français…).
    C_('language name', 'English'),
    N_('Loading Zorvane…'),
    N_('The game board'),
    # Translators: the buttons beside the board; the touch pictures name Deal
    # and End by these same words.
    C_('button', 'Deal'),
    C_('button', 'End'),
    C_('button', 'Full screen'),
    C_('button', 'Play again'),
    # Translators: the keyboard and mouse hint; translate the key names inside
    # <kbd> as the keys are labelled in your language.
    N_('<kbd>Space</kbd> deals · drag a sign onto another (any mouse button) '
       'to swap them · <kbd>Esc</kbd> ends'),
    N_('Drag a sign onto another to swap them.'),
    N_('Turn the screen sideways for a larger board.'),
    # Translators: how the run ended, shown over the board.
    N_('Won: every row is sorted.'),
    N_('This browser cannot draw the game.'),
    N_('A picture could not be loaded.'),
    N_('The game was ended.'),
    N_('The game could not run.'),
    # Translators: {status} is the program's exit status, a number.
    N_('The game ended with status {status}.'),
    # Translators: the menu of languages under the board, as a screen reader
    # names it.
    N_('Language'),
    # Translators: shown when a language is chosen with no network that this
    # device has not kept yet.
    N_('This language needs the network the first time: connect and choose '
       'it again.'),
]
