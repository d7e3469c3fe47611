/* The data image: every file of this folder back to back in the order the
   game stores them, with a table of where each one lies (data_image.h).
   Written by tools/assetgen (make assets) with the files themselves. */

        .section .rodata.BuiltInBlocks, "a"
        .balign 4
        .globl  BuiltInBlocks
        .type   BuiltInBlocks, @object
BuiltInBlocks:

        .section .rodata
        .balign 16
        .globl  BuiltInData
        .type   BuiltInData, @object
BuiltInData:

/* Embeds one file and adds its offset and size to the table. */
.macro block file
.Lstart\@:
        .incbin "\file"
.Lend\@:
        .pushsection .rodata.BuiltInBlocks, "a"
        .long   .Lstart\@ - BuiltInData, .Lend\@ - .Lstart\@
        .popsection
.endm

/* The level: map, bosses, waves. */
        block "level/map.bin"
        block "level/bosses.bin"
        block "level/waves.bin"

/* The pictures, in the order start-up loads them. */
        block "pictures/51_panel.bmp"
        block "pictures/01_frame_top.bmp"
        block "pictures/02_frame_bottom.bmp"
        block "pictures/03_frame_left.bmp"
        block "pictures/04_frame_right.bmp"
        block "pictures/00_tiles.bmp"
        block "pictures/20_fighter_shadow.bmp"
        block "pictures/14_raider_shadow.bmp"
        block "pictures/17_diver_shadow.bmp"
        block "pictures/23_striker_shadow.bmp"
        block "pictures/26_interceptor_shadow.bmp"
        block "pictures/09_player_shadow_1.bmp"
        block "pictures/10_player_shadow_2.bmp"
        block "pictures/11_player_shadow_3.bmp"
        block "pictures/12_player_shadow_4.bmp"
        block "pictures/05_player_1.bmp"
        block "pictures/06_player_2.bmp"
        block "pictures/07_player_3.bmp"
        block "pictures/08_player_4.bmp"
        block "pictures/13_player_bullet.bmp"
        block "pictures/37_shot_red.bmp"
        block "pictures/38_shot_yellow.bmp"
        block "pictures/15_raider_1.bmp"
        block "pictures/16_raider_2.bmp"
        block "pictures/18_diver_1.bmp"
        block "pictures/19_diver_2.bmp"
        block "pictures/21_fighter_1.bmp"
        block "pictures/22_fighter_2.bmp"
        block "pictures/24_striker_1.bmp"
        block "pictures/25_striker_2.bmp"
        block "pictures/27_interceptor_1.bmp"
        block "pictures/28_interceptor_2.bmp"
        block "pictures/29_gunboat_west.bmp"
        block "pictures/30_corvette_south.bmp"
        block "pictures/31_gunboat_east.bmp"
        block "pictures/32_tank_west.bmp"
        block "pictures/33_tank_southwest.bmp"
        block "pictures/34_tank_south.bmp"
        block "pictures/35_scout_car_southeast.bmp"
        block "pictures/36_flak_emplacement.bmp"
        block "pictures/40_explosion_8.bmp"
        block "pictures/41_explosion_7.bmp"
        block "pictures/42_explosion_6.bmp"
        block "pictures/43_explosion_5.bmp"
        block "pictures/44_explosion_4.bmp"
        block "pictures/45_explosion_3.bmp"
        block "pictures/46_explosion_2.bmp"
        block "pictures/47_explosion_1.bmp"
        block "pictures/52_gauge_marker.bmp"
        block "pictures/60_digit_0.bmp"
        block "pictures/61_digit_1.bmp"
        block "pictures/62_digit_2.bmp"
        block "pictures/63_digit_3.bmp"
        block "pictures/64_digit_4.bmp"
        block "pictures/65_digit_5.bmp"
        block "pictures/66_digit_6.bmp"
        block "pictures/67_digit_7.bmp"
        block "pictures/68_digit_8.bmp"
        block "pictures/69_digit_9.bmp"
        block "pictures/49_get_ready.bmp"
        block "pictures/50_game_over.bmp"
        block "pictures/53_credits.bmp"
        block "pictures/54_title.bmp"
        block "pictures/55_bomber.bmp"
        block "pictures/56_bomber_damaged.bmp"
        block "pictures/57_bomber_wreck.bmp"
        block "pictures/70_battleship.bmp"
        block "pictures/71_battleship_damaged.bmp"
        block "pictures/72_battleship_wreck.bmp"
        block "pictures/75_level_complete.bmp"

/* The sounds, 0 to 9. */
        block "sounds/0_hit.wav"
        block "sounds/1_gun.wav"
        block "sounds/2_explosion.wav"
        block "sounds/3_enemy_shot.wav"
        block "sounds/4_player_destroyed.wav"
        block "sounds/5_boss_destroyed.wav"
        block "sounds/6_play_music.wav"
        block "sounds/7_boss_music_rhythm.wav"
        block "sounds/8_title_music.wav"
        block "sounds/9_boss_music_lead.wav"

.LdataEnd:
        .size   BuiltInData, .LdataEnd - BuiltInData

        .section .rodata.BuiltInBlocks, "a"
.LblocksEnd:
        .size   BuiltInBlocks, .LblocksEnd - BuiltInBlocks
        .balign 4
        .globl  BuiltInBlockCount
        .type   BuiltInBlockCount, @object
BuiltInBlockCount:
        .long   (.LblocksEnd - BuiltInBlocks) / 8
        .size   BuiltInBlockCount, 4

        .section .note.GNU-stack, "", @progbits
