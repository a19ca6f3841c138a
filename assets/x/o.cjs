quorvane-skin 1
# "Slate": a calm, quiet look for the main window. The format is described in src/core/look/Skin.h.

[window]
background = #EEF1F5

[frame]
background = #EEF1F5
text = #22364F
font = Arial, 9, bold

[button]
background = #2E5A87
text = #FFFFFF
hover = #3B70A6
border = #1F4166
font = Arial, 11.25, bold

[box]
background = #FFFFFF
text = #1C2430
border = #9AABBF
font = Arial, 9, normal
